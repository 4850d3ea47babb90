#include "parts.au3"
done!
