// Quillmoor: the main window over the command line ("/G", "/S" or drawings).
#include "program_session.h"

int main(int argc, char** argv) { return RunQuillmoor(argc, argv); }
