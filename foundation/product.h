// product: facts about the product both programs show.
#pragma once

// The web page the launcher's "Visit site" opens and the end screen names:
// a placeholder address of the project's own.
extern const char* const productWebAddress;
