#pragma once
#include <QObject>
#include <functional>

class QWidget;

// A form with key preview sees every key before the focused control does. The filter watches
// the form and all its controls (also those added later) and hands each pressed key to onKey;
// the key then goes on to the control as usual.
class KeyPreview : public QObject {
 public:
  KeyPreview(QWidget* form, std::function<void(int key)> onKey);
  // Call after controls were added to the form.
  void Watch(QWidget* widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* form_;
  std::function<void(int key)> onKey_;
};
