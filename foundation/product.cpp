#include "product.h"

const char* const productWebAddress = "https://zentrel.example.org";
