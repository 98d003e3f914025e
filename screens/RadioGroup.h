#pragma once
#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

// A radio group: a captioned box with one radio button per item, stacked; ItemIndex is the
// chosen item. The Click signal comes from the user's choice only; code that sets the index
// applies the click handler itself.
class TRadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

  int ItemIndex() const;
  void SetItemIndex(int index);
  QRadioButton* Button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }

 signals:
  void Click();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QButtonGroup* group_;
  std::vector<QRadioButton*> buttons_;
};
