#include "app/ProgramBlock.h"

int main(int argc, char **argv)
{
    return ProgramBlock(argc, argv);
}
