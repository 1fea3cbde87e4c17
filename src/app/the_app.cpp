#include "app/setup_app.h"

// The one application object, constructed when the program loads.
CSetupApp theApp;
