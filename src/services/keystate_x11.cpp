#include "services/keystate.h"
