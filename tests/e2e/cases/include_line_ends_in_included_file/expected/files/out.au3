one
twotwo
last = 1 + 
done!
