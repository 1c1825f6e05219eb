#include "NullWindow.h"
