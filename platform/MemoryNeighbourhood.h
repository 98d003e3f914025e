#pragma once
#include "platform/NetNeighbourhood.h"
