#pragma once
#include <QString>
#include <functional>
#include <memory>

#include "platform/NetNeighbourhood.h"

class MainThreadHandover;

// The walk through the network neighbourhood. It runs once on a thread of its own, which owns
// the object and frees it at the end; nothing keeps track of it. Every entry is handed to the
// main thread one at a time, and the walk waits until it has been handled there. When the
// window goes away the handover closes, and the walk stops at its next entry.
class TWNet {
 public:
  // Adds one item to the window's list; runs on the main thread.
  using AddItemProc = std::function<void(const QString& caption, int imageIndex)>;

  TWNet(std::shared_ptr<platform::NetNeighbourhood> source,
        std::shared_ptr<MainThreadHandover> handover, AddItemProc addItem);

  // Starts the thread; from here on it owns the walk.
  static void Start(std::unique_ptr<TWNet> walk);

  // The run routine: the whole neighbourhood from the top level.
  void Execute();

 private:
  // One level and, depth first, the containers inside it. False once the handover has closed.
  bool EnumResources(const platform::NetResource* parent);
  // Main thread: the entry in FNetResource.
  void AddMachine();

  std::shared_ptr<platform::NetNeighbourhood> source_;
  std::shared_ptr<MainThreadHandover> handover_;
  AddItemProc addItem_;
  platform::NetResource FNetResource;  // the entry being handed to the main thread
};
