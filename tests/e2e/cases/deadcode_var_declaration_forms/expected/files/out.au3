Local Static $counter = 0 ; times called
Global Const $MAX = 10, $MIN = 0
Global Enum $E_ONE, $E_TWO
Dim $grid[3][3]
Local $csv = 'a,b'
Local $total = Sum(1, 2)
; $MIN is mentioned in this comment
$counter += $MAX + $total + $grid[0][0] + $csv
