#include "cli/programstart.h"

int main(int argc, char *argv[])
{
    return Lumisong::runLumisong(argc, argv);
}
