#include "SunkenFrame.h"
