// quillex: the desktop program. Everything but the entry point lives in
// app/ (program.h), so tests can drive the same start-up in their own
// process.
#include "app/program.h"

int main(int argc, char** argv) { return quillex::QuillexMain(argc, argv); }
