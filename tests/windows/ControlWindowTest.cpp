#include "WindowsFixture.h"
