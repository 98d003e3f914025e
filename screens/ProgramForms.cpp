#include "screens/ProgramForms.h"

#include "lan/TWntDisp.h"
#include "net/Socket.h"
#include "screens/ChildWin.h"
#include "screens/Data.h"
#include "screens/GamenRoom.h"
#include "screens/Menu.h"
#include "screens/MenuWk.h"

TProgramForms::TProgramForms(const QString& exePath, std::shared_ptr<platform::NetNeighbourhood> neighbourhood,
                             const QString& dataPath) {
  menu_ = std::make_unique<TfrmMenu>(exePath, record_, dataPath);
  frmMenu = menu_.get();
  // The LAN picker belongs to the dialog that opens it.
  netDisp_ = neighbourhood ? std::make_unique<TWNetDisp>(frmMenu, neighbourhood) : std::make_unique<TWNetDisp>(frmMenu);
  WNetDisp = netDisp_.get();
  gamen_ = std::make_unique<TfrmGamen>(record_);
  frmGamen = gamen_.get();
  socket_ = std::make_unique<TfrmSocket>();
  frmSocket = socket_.get();
  menuWk_ = std::make_unique<TfrmMenuWk>();
  frmMenuWk = menuWk_.get();
  data_ = std::make_unique<TfrmData>();
  frmData = data_.get();
  AttachRoom(*frmGamen, *frmSocket, frmMenu->imChara, frmData);
}

TProgramForms::~TProgramForms() {
  data_.reset();
  frmData = nullptr;
  menuWk_.reset();
  frmMenuWk = nullptr;
  socket_.reset();
  frmSocket = nullptr;
  gamen_.reset();
  frmGamen = nullptr;
  netDisp_.reset();
  WNetDisp = nullptr;
  menu_.reset();
  frmMenu = nullptr;
}

void TProgramForms::ShowMain() { menu_->show(); }
