#include "Appl.h"

int main(int argc, char** argv) {
    return RunTembrolo(argc, argv);
}
