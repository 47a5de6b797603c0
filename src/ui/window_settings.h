#pragma once

#include <QString>

namespace rvq::ui {

// Where the per-user window placement is kept (QSettings of the
// organisation "VANTORA", application "R-VQ Setting Tool").
inline const QString kPlacementKey = QStringLiteral("Settings/WindowsPos");

// Forgets the placement, so the next start opens with the default size.
void ClearWindowPlacement();

}  // namespace rvq::ui
