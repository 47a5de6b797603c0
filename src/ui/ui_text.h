#pragma once

#include <QString>
#include <string>

namespace rvq {
class Strings;
}

namespace rvq::ui {

inline QString ToQt(const std::string& text) { return QString::fromStdString(text); }
inline std::string FromQt(const QString& text) { return text.toStdString(); }

// A string-table text for a widget: CR LF line ends become LF.
QString Text(const Strings& strings, int id);

// A file dialog filter ("CSV Files (*.CSV *.csv);;All Files (*)") from a
// filter text of the string table.
QString DialogFilter(const Strings& strings, int filterId);

}  // namespace rvq::ui
