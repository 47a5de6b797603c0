#pragma once

#include <optional>
#include <string>

class QWidget;

namespace rvq {
class Strings;
}

namespace rvq::ui {

// How the windows ask for a file name, so tests can answer without a
// dialog. Titles, filters and extensions are string ids; a title id of 0
// keeps the dialog's own title.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> OpenFile(QWidget* parent, int titleId, int filterId) = 0;
    // The name gets `extensionId`'s extension when it has none.
    virtual std::optional<std::string> SaveFile(QWidget* parent, int titleId, int filterId,
                                                int extensionId) = 0;
    virtual std::optional<std::string> OpenFolder(QWidget* parent, int titleId) = 0;
};

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(const Strings& strings) : strings_(strings) {}
    std::optional<std::string> OpenFile(QWidget* parent, int titleId, int filterId) override;
    std::optional<std::string> SaveFile(QWidget* parent, int titleId, int filterId,
                                        int extensionId) override;
    std::optional<std::string> OpenFolder(QWidget* parent, int titleId) override;

private:
    const Strings& strings_;
};

}  // namespace rvq::ui
