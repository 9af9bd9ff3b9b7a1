#include "IEngine.h"

IEngine* g_Engine = nullptr;
