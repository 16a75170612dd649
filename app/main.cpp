// The viewer, orvane.
#include "app/my_app.h"

int main(int argc, char** argv) { return orvane::runViewer(argc, argv); }
