#include "app/Startup.h"
#include "platform/Application.h"

// The program reads no command line.
int main() {
    platform::Application application;
    Module1::Start();
    return application.run();
}
