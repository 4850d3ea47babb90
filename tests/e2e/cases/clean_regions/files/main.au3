#Region Main
# region spaced
#REGION upper
Local $a = 1 ; #Region after code stays
#End Region
	#endregion
#RegionStart
#Regio incomplete
