a

  b  
