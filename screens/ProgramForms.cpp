#include "screens/ProgramForms.h"

#include "lan/TWntDisp.h"
#include "net/Socket.h"
#include "screens/ChildWin.h"
#include "screens/Data.h"
#include "screens/GamenRoom.h"
#include "screens/Menu.h"
#include "screens/MenuWk.h"

namespace {
// A window goes, and the global that names it with it.
template <class Form>
void Release(std::unique_ptr<Form>& form, Form*& global) {
  form.reset();
  global = nullptr;
}
}  // namespace

TProgramForms::TProgramForms(const QString& exePath, std::shared_ptr<platform::NetNeighbourhood> neighbourhood,
                             const QString& dataPath, const QString& preferencesFile)
    : session_(exePath, preferencesFile) {
  session_.dataFolder = dataPath.isEmpty() ? exePath : dataPath;
  menu_ = std::make_unique<TfrmMenu>(exePath, record_, session_.game, dataPath);
  frmMenu = menu_.get();
  // The LAN picker belongs to the dialog that opens it.
  netDisp_ = neighbourhood ? std::make_unique<TWNetDisp>(frmMenu, neighbourhood) : std::make_unique<TWNetDisp>(frmMenu);
  WNetDisp = netDisp_.get();
  gamen_ = std::make_unique<TfrmGamen>(record_, session_);
  frmGamen = gamen_.get();
  socket_ = std::make_unique<TfrmSocket>();
  frmSocket = socket_.get();
  menuWk_ = std::make_unique<TfrmMenuWk>(session_);
  frmMenuWk = menuWk_.get();
  data_ = std::make_unique<TfrmData>();
  frmData = data_.get();
  AttachRoom(*frmGamen, *frmSocket, frmMenu->imChara, frmData);
}

TProgramForms::~TProgramForms() {
  Release(data_, frmData);
  Release(menuWk_, frmMenuWk);
  Release(socket_, frmSocket);
  Release(gamen_, frmGamen);
  Release(netDisp_, WNetDisp);
  Release(menu_, frmMenu);
}

void TProgramForms::ShowMain() { menu_->show(); }
