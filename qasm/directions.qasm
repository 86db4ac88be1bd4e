; directions.qasm - 文字の向き（ポート41）
;
; 同じことば「QRX マシンモニタ」を4つの向きで書いて、正方形のわくを作り、
; 下にそれぞれの辺の向きを説明して停止します。
;
; 文字の向きは1文字ずつのセルの中で文字を回すだけで、書き込み位置は
; どの向きでも右へ1つ進みます。そのため、ことばが向きどおりに読める
; ように、行と桁はプログラムで動かします。
;
;   ポート41 : 書くとこれから書く文字の向き（0～3）
;              0 = 左から右へ（ふつう）  1 = 上から下へ（右へ90度）
;              2 = 右から左へ（さかさま） 3 = 下から上へ（左へ90度）
;              読むと「書き込み位置にある文字」の向きが返る
;   ポート33 / 34 : 書き込む行 / 桁
;   ポート35～40 : 文字色・背景色（赤・緑・青）
;   ポート17 : 書くと1文字書く
;   ポート16 : 画面全体を消去
;
; わくは左上のすみが（行10, 桁20）、右下のすみが（行21, 桁31）です。

        OUT     #35, #255       ; *画面の準備：白い文字、紺色の背景で消去
        OUT     #36, #255
        OUT     #37, #255
        OUT     #38, #0
        OUT     #39, #0
        OUT     #40, #64
        OUT     #16, #0

        OUT     #33, #3         ; 見出し（向き0）
        OUT     #34, #16
        LD      PTR, #TITLE
        CALL    PUTS

; *4つの辺を書く。DROW / DCOL は1文字ごとに行と桁をいくつ動かすか
        LD      DIR, #0         ; 上の辺：行10を右へ
        LD      ROW, #10
        LD      COL, #21
        LD      DROW, #0
        LD      DCOL, #1
        CALL    EDGE

        LD      DIR, #1         ; 右の辺：桁31を下へ
        LD      ROW, #11
        LD      COL, #31
        LD      DROW, #1
        LD      DCOL, #0
        CALL    EDGE

        LD      DIR, #2         ; 下の辺：行21を左へ（-1 は 65535 と同じ）
        LD      ROW, #21
        LD      COL, #30
        LD      DROW, #0
        LD      DCOL, #-1
        CALL    EDGE

        LD      DIR, #3         ; 左の辺：桁20を上へ
        LD      ROW, #20
        LD      COL, #20
        LD      DROW, #-1
        LD      DCOL, #0
        CALL    EDGE

; *四すみに■を置く（向き0、白）
;   1文字書くと桁が1つ進むので、すみごとに行と桁を両方決めなおす
        OUT     #41, #0
        OUT     #35, #255
        OUT     #36, #255
        OUT     #37, #255
        OUT     #33, #10        ; 左上
        OUT     #34, #20
        OUT     #17, #■$        ; 文字定数：■ のシフトJISコード
        OUT     #33, #10        ; 右上
        OUT     #34, #31
        OUT     #17, #■$
        OUT     #33, #21        ; 右下
        OUT     #34, #31
        OUT     #17, #■$
        OUT     #33, #21        ; 左下
        OUT     #34, #20
        OUT     #17, #■$

; *各辺の最初の文字の向きをポート41から読み返す
        OUT     #33, #10        ; 上の辺の最初の文字（行10, 桁21）
        OUT     #34, #21
        IN      D0, #41
        OUT     #33, #11        ; 右の辺（行11, 桁31）
        OUT     #34, #31
        IN      D1, #41
        OUT     #33, #21        ; 下の辺（行21, 桁30）
        OUT     #34, #30
        IN      D2, #41
        OUT     #33, #20        ; 左の辺（行20, 桁20）
        OUT     #34, #20
        IN      D3, #41

; *説明を4行書く：文章、読み返した向きの数字、文章の続き
        LD      ROW, #26
        LD      PTR, #L0A
        LD      NUM, D0
        LD      PTR2, #L0B
        CALL    LEGEND
        LD      PTR, #L1A
        LD      NUM, D1
        LD      PTR2, #L1B
        CALL    LEGEND
        LD      PTR, #L2A
        LD      NUM, D2
        LD      PTR2, #L2B
        CALL    LEGEND
        LD      PTR, #L3A
        LD      NUM, D3
        LD      PTR2, #L3B
        CALL    LEGEND

        HALT                    ; *ここで停止

; EDGE: 向き DIR、色は COLORS の DIR 番目で、WORD の文字列を
;       (ROW, COL) から 1文字ごとに (DROW, DCOL) ずつ動かしながら書く
EDGE:   PROC
        OUT     #41, DIR        ; これから書く文字の向き
        LD      P, #COLORS      ; P = COLORS + DIR × 3（かけ算は足し算で）
        ADD     P, DIR
        ADD     P, DIR
        ADD     P, DIR
        OUT     #35, [P]        ; 赤
        ADD     P, #1
        OUT     #36, [P]        ; 緑
        ADD     P, #1
        OUT     #37, [P]        ; 青
        LD      P, #WORD
LOOP:   LD      CH, [P]         ; 次の文字
        JPF     DONE, CH        ; 0 なら終わり
        OUT     #33, ROW        ; 行と桁を決めてから1文字
        OUT     #34, COL
        OUT     #17, CH
        ADD     ROW, DROW       ; 次のセルへ
        ADD     COL, DCOL
        ADD     P, #1
        JP      LOOP
DONE:   RET
P:      DW      0               ; 文字列や色表を指すポインタ
        ENDPROC

; LEGEND: 行 ROW の桁12から、PTR の文字列、NUM の数字1けた、PTR2 の文字列を
;         向き0・白で書き、ROW を1つ進める
LEGEND: PROC
        OUT     #41, #0
        OUT     #35, #255
        OUT     #36, #255
        OUT     #37, #255
        OUT     #33, ROW
        OUT     #34, #12
        CALL    PUTS
        LD      CH, NUM         ; 数字の文字コード = 0$ + NUM
        ADD     CH, #0$
        OUT     #17, CH
        LD      PTR, PTR2
        CALL    PUTS
        ADD     ROW, #1
        RET
        ENDPROC

; PUTS: PTR が指す文字列を 0 の語まで書く（書き込み位置から右へ）
PUTS:   PROC
LOOP:   LD      CH, [PTR]
        JPF     DONE, CH
        OUT     #17, CH
        ADD     PTR, #1
        JP      LOOP
DONE:   RET
        ENDPROC

; 変数
DIR:    DW      0               ; 向き 0～3
ROW:    DW      0               ; 書く行
COL:    DW      0               ; 書く桁
DROW:   DW      0               ; 1文字ごとに行をいくつ動かすか
DCOL:   DW      0               ; 1文字ごとに桁をいくつ動かすか
CH:     DW      0               ; いま書く文字
PTR:    DW      0               ; 文字列を指すポインタ
PTR2:   DW      0               ; 2つめの文字列
NUM:    DW      0               ; 数字1けた
D0:     DW      0               ; 読み返した向き（上・右・下・左の辺）
D1:     DW      0
D2:     DW      0
D3:     DW      0

; 辺ごとの文字色（赤, 緑, 青）：向き0＝黄、1＝水色、2＝桃色、3＝黄緑
COLORS: DW      255, 224, 0
        DW      96, 208, 255
        DW      255, 128, 192
        DW      160, 255, 96

; 文字列（0 で終わる）
WORD:   DW      'QRX マシンモニタ', 0
TITLE:  DW      '文字の向き（ポート41）', 0
L0A:    DW      '上の辺　向き＝', 0
L0B:    DW      '　左から右へ（ふつう）', 0
L1A:    DW      '右の辺　向き＝', 0
L1B:    DW      '　上から下へ（右へ90度）', 0
L2A:    DW      '下の辺　向き＝', 0
L2B:    DW      '　右から左へ（さかさま）', 0
L3A:    DW      '左の辺　向き＝', 0
L3B:    DW      '　下から上へ（左へ90度）', 0
