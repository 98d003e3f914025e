#include "net/Socket.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

#include "platform/Dialogs.h"

TfrmSocket* frmSocket = nullptr;

namespace {
// A long line (the room's addresses, a long chat line) must not scroll the log sideways, away
// from the start of every other line.
void ShowFromTheLeft(QAbstractScrollArea* log) {
  if (QScrollBar* bar = log->horizontalScrollBar()) bar->setValue(bar->minimum());
}
}  // namespace

TfrmSocket::TfrmSocket(QWidget* parent, platform::Dialogs dialogs, RoomSystem system)
    : QWidget(parent), lbUserName(new QListWidget(this)), dialogs_(std::move(dialogs)), room_(this, std::move(system)) {
  setObjectName(QStringLiteral("frmSocket"));
  setWindowTitle(QStringLiteral("Socket管理"));
  lbUserName->setObjectName(QStringLiteral("lbUserName"));
}

TfrmSocket::~TfrmSocket() {
  room_.CancelStart();
  room_.CloseRoom();
}

void TfrmSocket::closeEvent(QCloseEvent* event) {
  room_.CancelStart();
  room_.CloseRoom();
  QWidget::closeEvent(event);
}

void TfrmSocket::UsersChanged() {
  lbUserName->clear();
  lbUserName->addItems(room_.UserNames());
}

void TfrmSocket::MemberLeft(int clientNumber) {
  if (view_) view_->MemberLeft(clientNumber);
}

void TfrmSocket::HostLost() {
  if (view_) view_->HostLost();
}

void TfrmSocket::RoomLine(const QString& line) {
  if (output_) AppendLogLine(line);
  else waitingLines_ << line;
}

void TfrmSocket::StartHost(const QString& hostName, std::uint16_t port, const QString& userName, bool openRouterPort,
                           Done done) {
  portInUse_ = false;
  NetRoom::HostOptions options;
  options.openRouterPort = openRouterPort;
  room_.StartHost(hostName, port, userName, options, [this, done](NetRoom::Outcome outcome) {
    portInUse_ = outcome == NetRoom::Outcome::PortInUse;
    done(outcome == NetRoom::Outcome::Joined ? 0 : -1);
  });
}

void TfrmSocket::ConnectToHost(const QString& hostName, std::uint16_t port, const QString& userName, Done done) {
  room_.ConnectToHost(hostName, port, userName, [this, done](NetRoom::Outcome outcome) {
    if (outcome == NetRoom::Outcome::Refused)
      dialogs_.ShowMessage(QStringLiteral("この番号は現在使われておりません"), QStringLiteral("ネットワークの接続"));
    done(outcome == NetRoom::Outcome::Joined ? 0 : -1);
  });
}

int TfrmSocket::SetOutputControl(QWidget* control) {
  output_ = control;
  if (output_) {
    const QStringList lines = std::exchange(waitingLines_, {});
    for (const QString& line : lines) AppendLogLine(line);
  }
  return 0;
}

void TfrmSocket::AppendLogLine(const QString& line) {
  QWidget* out = output_.data();
  if (!out) return;
  if (auto* label = qobject_cast<QLabel*>(out)) {
    label->setText(line);
  } else if (auto* edit = qobject_cast<QLineEdit*>(out)) {
    edit->setText(line);
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(out)) {
    memo->appendPlainText(line);
    ShowFromTheLeft(memo);
  } else if (auto* rich = qobject_cast<QTextEdit*>(out)) {
    // Inserted as plain text: a peer's line is never read as markup.
    QTextCursor cursor(rich->document());
    cursor.movePosition(QTextCursor::End);
    if (!rich->document()->isEmpty()) cursor.insertBlock();
    cursor.insertText(line);
    ShowFromTheLeft(rich);
  } else if (auto* list = qobject_cast<QListWidget*>(out)) {
    list->addItem(line);
  } else if (auto* combo = qobject_cast<QComboBox*>(out)) {
    combo->addItem(line);
  }
}

void TfrmSocket::HandleRecord(const TNetRecord& record) {
  const std::uint16_t kind = record.Kind();
  const bool logged = kind == mkJoin || kind == mkChat || kind == mkLeave;
  const QString line = logged ? LogLine(record) : QString();
  if (view_) view_->ApplyRecord(record);
  if (logged) AppendLogLine(line);
}
