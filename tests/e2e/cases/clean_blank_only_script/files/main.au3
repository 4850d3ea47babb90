   
	

; only a comment
