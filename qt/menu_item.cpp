#include "qt/menu_item.h"

#include <QMenu>
#include <QWidget>

namespace ui {

QAction* addMenuItem(QWidget* window, QMenu* menu, const QString& objectName,
                     const QString& caption, const QKeySequence& shortcut,
                     std::function<void()> handler) {
  auto* a = new QAction(caption, window);
  a->setObjectName(objectName);
  if (!shortcut.isEmpty()) {
    a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WindowShortcut);
  }
  if (handler) QObject::connect(a, &QAction::triggered, window, std::move(handler));
  if (menu) menu->addAction(a);
  // The window holds every action too: a popup menu is a window of its own,
  // hidden until it is opened, and would keep its items' keys dead till then.
  window->addAction(a);
  return a;
}

}  // namespace ui
