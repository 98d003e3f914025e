#include "platform/NameLookup.h"

#include <netdb.h>
#include <signal.h>
#include <sys/socket.h>

#include <QMetaObject>
#include <QPointer>

#include <algorithm>

#include "platform/MainThreadHandover.h"

namespace platform {
namespace {

std::vector<IpAddress> AddressesOf(const addrinfo* list) {
  std::vector<IpAddress> out;
  for (const addrinfo* a = list; a; a = a->ai_next) {
    const std::optional<IpAddress> address = IpAddress::FromSockaddr(a->ai_addr);
    if (address && std::find(out.begin(), out.end(), *address) == out.end()) out.push_back(*address);
  }
  return out;
}
}  // namespace

// One request to the system's asynchronous resolver. It lives until the resolver is done with
// it, which may be long after the look-up was cancelled: the resolver's notification owns it.
struct NameLookup::Pending {
  QByteArray name;
  addrinfo hints{};
  gaicb request{};
  std::shared_ptr<MainThreadHandover> handover;
  Answer answered;
};

namespace {
void Finished(sigval value) {
  // On a thread of the resolver's: the answer goes to the window thread, which may have
  // closed the handover (cancelled) meanwhile; either way this request is done with.
  auto* holder = static_cast<std::shared_ptr<NameLookup::Pending>*>(value.sival_ptr);
  const std::shared_ptr<NameLookup::Pending> pending = *holder;
  delete holder;
  const int status = gai_error(&pending->request);
  std::vector<IpAddress> addresses = status == 0 ? AddressesOf(pending->request.ar_result) : std::vector<IpAddress>{};
  if (pending->request.ar_result) ::freeaddrinfo(pending->request.ar_result);
  pending->handover->Run([&] { pending->answered(std::move(addresses)); });
}
}  // namespace

NameLookup::NameLookup(const QString& name, Answer answered, const Resolver& resolver)
    : pending_(std::make_shared<Pending>()) {
  pending_->answered = std::move(answered);
  pending_->handover = std::make_shared<MainThreadHandover>(&context_);
  if (resolver) {
    // Answers are posted, so that, as from the system's resolver, none arrives inside this call.
    std::weak_ptr<Pending> weak = pending_;
    resolver(name, [context = QPointer<QObject>(&context_), weak](std::vector<IpAddress> addresses) {
      if (!context) return;  // the look-up is gone: nobody is waiting for the answer
      QMetaObject::invokeMethod(context, [weak, addresses] {
        if (const auto p = weak.lock(); p && p->handover->IsOpen()) p->answered(addresses);
      }, Qt::QueuedConnection);
    });
    return;
  }
  pending_->name = name.toUtf8();
  pending_->hints.ai_family = AF_UNSPEC;
  pending_->hints.ai_socktype = SOCK_STREAM;
  pending_->request.ar_name = pending_->name.constData();
  pending_->request.ar_request = &pending_->hints;
  sigevent notify{};
  notify.sigev_notify = SIGEV_THREAD;
  notify.sigev_notify_function = Finished;
  auto* holder = new std::shared_ptr<Pending>(pending_);
  notify.sigev_value.sival_ptr = holder;
  gaicb* list[] = {&pending_->request};
  if (name.isEmpty() || ::getaddrinfo_a(GAI_NOWAIT, list, 1, &notify) != 0) {
    delete holder;
    // No request went out: the answer (nothing) still comes later, as any other would.
    std::weak_ptr<Pending> weak = pending_;
    QMetaObject::invokeMethod(&context_, [weak] {
      if (const auto p = weak.lock(); p && p->handover->IsOpen()) p->answered({});
    }, Qt::QueuedConnection);
  }
}

NameLookup::~NameLookup() { pending_->handover->Close(); }


}  // namespace platform
