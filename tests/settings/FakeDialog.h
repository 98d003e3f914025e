#pragma once
#include "settings/SaveFile.h"

#include <QString>
#include <QStringList>

// The connection dialog's state as plain fields, starting from its design defaults.
// NextChara moves the selection as btNextClick does.
struct FakeDialog : settings::SettingsDialogPort {
  int netItem = 0;
  bool oya = true;
  QString host, port, user;
  QStringList charaList;
  int charaTag = 0;
  int nextPresses = 0;

  void SelectNoNetwork() override { netItem = 1; }
  void UncheckOya() override { oya = false; }
  void SetHostName(const QString& t) override { host = t; }
  void SetPortText(const QString& t) override { port = t; }
  void SetUserName(const QString& t) override { user = t; }
  int CharaCount() const override { return static_cast<int>(charaList.size()); }
  QString CharaPath(int i) const override { return charaList.at(i); }
  void NextChara() override {
    ++nextPresses;
    ++charaTag;
  }

  bool NetworkSelected() const override { return netItem == 0; }
  bool OyaChecked() const override { return oya; }
  QString HostNameText() const override { return host; }
  QString PortText() const override { return port; }
  QString UserNameText() const override { return user; }
};
