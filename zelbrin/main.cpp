#include "window/startup.h"

int main(int argc, char *argv[]) {
    return zelbrinMain(argc, argv);
}
