#include "window/startup.h"

int main(int argc, char *argv[]) {
    return zelbrin::zelbrinMain(argc, argv);
}
