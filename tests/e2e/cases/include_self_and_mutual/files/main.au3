start
#include "ping.au3"
#include "self.au3"
end
