#include "random.h"

// Seeded from the clock at start-up; zero until then.
Random gameRandom;
