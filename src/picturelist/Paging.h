#pragma once

#include "state/Context.h"

namespace zelvano {

void Command2_Click(Context& c); // "Previous 30"
void Command3_Click(Context& c); // "Next 30"

} // namespace zelvano
