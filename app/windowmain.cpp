#include "app/application.h"

int main(int argc, char *argv[])
{
    return Lumisong::runWindowProgram(argc, argv);
}
