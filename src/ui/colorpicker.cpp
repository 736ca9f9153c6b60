#include "ui/colorpicker.h"
