#pragma once

#include <QWidget>

namespace rvq::ui {

// A control built of several widgets takes the focus for its inner field.
// A label's access key only moves the focus to a buddy that accepts it, so
// the container takes the field's focus policy as well as passing the
// focus on; Tab still stops at the field alone.
inline void ForwardFocus(QWidget* container, QWidget* field) {
    container->setFocusPolicy(field->focusPolicy());
    container->setFocusProxy(field);
}

}  // namespace rvq::ui
