#include "app/AppForms.h"

int main(int argc, char** argv) { return app::RunKorvelo(argc, argv); }
