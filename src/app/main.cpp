#include "app/entry.h"

int main(int argc, char** argv) { return zelFramework::showEntry(argc, argv); }
