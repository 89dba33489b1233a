#include "mesh3do.h"
