#include "app/application.h"

int main(int argc, char** argv)
{
    return vn::RunVelnote(argc, argv);
}
