pong
#include "Ping.au3"
