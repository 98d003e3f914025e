#include "net/Socket.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextEdit>

#include "net/RoomView.h"
#include "platform/Dialogs.h"

TfrmSocket* frmSocket = nullptr;

TfrmSocket::TfrmSocket(QWidget* parent)
    : QWidget(parent),
      lbUserName(new QListWidget(this)),
      room_(NetRoom::Hooks{[this](const TNetRecord& r) { HandleRecord(r); }, [this] { ShowUsers(); }}) {
  setObjectName(QStringLiteral("frmSocket"));
  setWindowTitle(QStringLiteral("Socket管理"));
  lbUserName->setObjectName(QStringLiteral("lbUserName"));
}

TfrmSocket::~TfrmSocket() { room_.CloseRoom(); }

void TfrmSocket::closeEvent(QCloseEvent* event) {
  room_.CloseRoom();
  QWidget::closeEvent(event);
}

void TfrmSocket::ShowUsers() {
  lbUserName->clear();
  lbUserName->addItems(room_.UserNames());
}

int TfrmSocket::StartHost(const QString& hostName, std::uint16_t port, const QString& userName) {
  return room_.StartHost(hostName, port, userName);
}

int TfrmSocket::ConnectToHost(const QString& hostName, std::uint16_t port, const QString& userName) {
  switch (room_.ConnectToHost(hostName, port, userName)) {
    case NetRoom::JoinResult::Joined:
      return 0;
    case NetRoom::JoinResult::Refused:
      platform::ShowMessage(QStringLiteral("この番号は現在使われておりません"), QStringLiteral("ネットワークの接続"));
      return -1;
    case NetRoom::JoinResult::NoAddress:
      break;
  }
  return -1;
}

int TfrmSocket::SetOutputControl(QWidget* control) {
  output_ = control;
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
  } else if (auto* rich = qobject_cast<QTextEdit*>(out)) {
    // Inserted as plain text: a peer's line is never read as markup.
    QTextCursor cursor(rich->document());
    cursor.movePosition(QTextCursor::End);
    if (!rich->document()->isEmpty()) cursor.insertBlock();
    cursor.insertText(line);
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
  if (RoomView* view = room_.View()) view->ApplyRecord(record);
  if (logged) AppendLogLine(line);
}
