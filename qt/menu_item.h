// One menu item of a window: an action owned by the window, named so that
// tests and check marks find it, with its shortcut active in the whole window.
#pragma once

#include <QAction>
#include <QKeySequence>
#include <functional>

class QMenu;
class QWidget;

namespace ui {

// The action belongs to the window whether or not it stands in a menu, so its
// key works while the window is active (a key with no visible item, as F1 of
// the section window, or an item of the popup menu, as Del).
QAction* addMenuItem(QWidget* window, QMenu* menu, const QString& objectName,
                     const QString& caption, const QKeySequence& shortcut,
                     std::function<void()> handler);

}  // namespace ui
