#include "app/StartUp.h"

int main(int argc, char* argv[])
{
    return StartUp::Run(argc, argv);
}
