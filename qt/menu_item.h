// One menu item of a window: an action owned by the window, named so that
// tests and check marks find it, with its shortcut active in the whole window.
#pragma once

#include <QAction>
#include <QKeySequence>
#include <functional>

class QMenu;
class QWidget;

namespace ui {

// Without a menu the action is added to the window itself (a key with no
// visible item, as F1 of the section window).
QAction* addMenuItem(QWidget* window, QMenu* menu, const QString& objectName,
                     const QString& caption, const QKeySequence& shortcut,
                     std::function<void()> handler);

}  // namespace ui
