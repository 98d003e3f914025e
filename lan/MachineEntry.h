#pragma once
#include <QString>
#include <optional>

#include "platform/NetNeighbourhood.h"

// The two decisions the walk makes about each entry, kept apart from the thread and the window.

// The list caption for an entry: a server's remote name without its two leading backslashes.
// Nothing for any other kind of entry, or when the remote name is missing or empty.
std::optional<QString> MachineCaption(const platform::NetResource& entry);

// Whether the walk opens the entry: containers are opened, except servers (their shares are
// not wanted).
bool OpensLevel(const platform::NetResource& entry);
