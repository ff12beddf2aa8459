#include "launcher.h"

int main() { return launcherMain(); }
