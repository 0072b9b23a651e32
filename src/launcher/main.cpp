#include "launch.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    prepareProcess(argc, argv);
    return launch(argc, argv);
}
