#include "screens/ProgramForms.h"

#include "lan/TWntDisp.h"
#include "platform/NetNeighbourhood.h"
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
                             const QString& dataPath, const QString& preferencesFile, Services services)
    : session_(exePath, preferencesFile, std::move(services)) {
  menu_ = std::make_unique<TfrmMenu>(session_, record_, dataPath);
  session_.dataFolder = dataPath.isEmpty() ? exePath : dataPath;
  frmMenu = menu_.get();
  // The LAN picker belongs to the dialog that opens it.
  netDisp_ = std::make_unique<TWNetDisp>(frmMenu, neighbourhood ? neighbourhood : platform::DefaultNetNeighbourhood(),
                                         session_.services.dialogs);
  WNetDisp = netDisp_.get();
  gamen_ = std::make_unique<TfrmGamen>(record_, session_);
  frmGamen = gamen_.get();
  socket_ = std::make_unique<TfrmSocket>(nullptr, session_.services.dialogs, session_.services.room);
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
