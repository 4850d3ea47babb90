for k in $(seq 1 50); do
  next=$(( k % 50 + 1 ))
  printf '$c%d = 1\r\n#include "C%d.au3"\r\n' $k $next > c$k.au3
done
