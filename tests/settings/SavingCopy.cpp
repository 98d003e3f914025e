// One copy of the program as far as velm.dat goes, for the test of copies running at once:
// reads the file and says "read", waits for a line on its input, wins that many games, takes
// its own window width and user name, saves, and says "saved".
//   velm_saving_copy <velm.dat> <games> <user name>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "FakeDialog.h"
#include "settings/SaveFile.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const QString path = QString::fromLocal8Bit(argv[1]);
  const int games = std::atoi(argv[2]);
  SaveRecord record;
  FakeDialog dialog;
  const settings::LoadResult loaded = settings::LoadSaveFile(path, record, dialog, platform::Dialogs{});
  std::cout << "read" << std::endl;
  std::string go;
  std::getline(std::cin, go);

  record.SouNum += games;
  record.SouWin += games;
  record.GamenWidth = 500 + games;
  dialog.user = QString::fromLocal8Bit(argv[3]);
  const settings::FileResult saved = settings::SaveMerged(path, record, dialog, loaded.read);
  std::cout << (saved.ok ? "saved" : "failed") << std::endl;
  return saved.ok ? 0 : 1;
}
