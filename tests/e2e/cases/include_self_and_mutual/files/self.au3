self
#include "self.au3"
