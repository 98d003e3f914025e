#include "screens/KeyPreview.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

KeyPreview::KeyPreview(QWidget* form, std::function<void(int key)> onKey)
    : QObject(form), form_(form), onKey_(std::move(onKey)) {
  Watch(form);
}

void KeyPreview::Watch(QWidget* widget) {
  widget->installEventFilter(this);
  for (QWidget* child : widget->findChildren<QWidget*>()) child->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  // An ignored key travels on to the parents; the form reacts once, where the key was first delivered.
  QWidget* focus = QApplication::focusWidget();
  QWidget* first = (focus && focus->window() == form_) ? focus : form_;
  if (watched == first) onKey_(static_cast<QKeyEvent*>(event)->key());
  return false;
}
