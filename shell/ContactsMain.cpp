// The one application object of the program.
#include "shell/ContactApp.h"

CContactApp theApp;
