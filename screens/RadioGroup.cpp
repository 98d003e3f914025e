#include "screens/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    group_->addButton(button, i);
    buttons_.push_back(button);
  }
  connect(group_, &QButtonGroup::idClicked, this, [this](int) { emit Click(); });
}

int TRadioGroup::ItemIndex() const { return group_->checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* button = group_->button(index)) button->setChecked(true);
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  // Items share the space under the caption evenly, as the design's radio groups do.
  const int top = fontMetrics().height() + 2;
  const int n = static_cast<int>(buttons_.size());
  if (n == 0) return;
  const int each = (height() - top - 4) / n;
  for (int i = 0; i < n; ++i) buttons_[static_cast<std::size_t>(i)]->setGeometry(8, top + i * each, width() - 16, each);
}
