#pragma once
#include <QString>
#include <functional>
#include <memory>

#include "platform/NetNeighbourhood.h"
#include "platform/Worker.h"

// The walk through the network neighbourhood, run by a worker owned by the window. Every entry
// is handed to the main thread one at a time, and the walk waits until it has been handled
// there. When the window goes away the worker is stopped, and the walk stops at its next entry.
class TWNet {
 public:
  // Adds one item to the window's list; runs on the main thread.
  using AddItemProc = std::function<void(const QString& caption, int imageIndex)>;

  TWNet(std::shared_ptr<platform::NetNeighbourhood> source, AddItemProc addItem);

  // The run routine: the whole neighbourhood from the top level, on the worker's thread.
  void Execute(platform::Worker::Context& context);

 private:
  // One level and, depth first, the containers inside it. False once the worker is stopped.
  bool EnumResources(const platform::NetResource* parent, platform::Worker::Context& context);
  // Main thread: the entry in FNetResource.
  void AddMachine();

  std::shared_ptr<platform::NetNeighbourhood> source_;
  AddItemProc addItem_;
  platform::NetResource FNetResource;  // the entry being handed to the main thread
};
