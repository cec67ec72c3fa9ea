// SPDX-License-Identifier: MIT
// Starts Tervalon's window.
#include "app/tervalon_app.h"

int main(int argc, char** argv)
{
    app::CTervalonApp application(argc, argv);
    return application.run();
}
