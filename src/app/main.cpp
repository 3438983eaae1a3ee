// Kalpiyon: the program entry.
#include "Application.h"

int main(int argc, char **argv)
{
    KalpiyonApplication app(argc, argv);
    return runProgram(app);
}
