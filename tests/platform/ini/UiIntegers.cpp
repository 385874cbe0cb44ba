// The ini layer reads whole numbers by the program's one rule, which lives in
// the ui layer. The tests of this folder link the ini library alone, so they
// compile that rule in themselves (the linker then takes no copy from the ui
// library, should the ini library come to link it).
#include "platform/ui/Integers.cpp"
