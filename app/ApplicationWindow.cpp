#include "../core/Application.h"
