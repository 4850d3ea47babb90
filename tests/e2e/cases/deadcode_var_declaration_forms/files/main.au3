Local Static $counter = 0 ; times called
Global Const $MAX = 10, $MIN = 0
Global Enum $E_ONE, $E_TWO
Dim $grid[3][3], $unusedArr[2] = [1, 2]
Local $csv = 'a,b', $unusedStr = "x;y"
Local $total = Sum(1, 2), $tmp ; scratch
; $MIN is mentioned in this comment
$counter += $MAX + $total + $grid[0][0] + $csv
