; colors.qasm - 色のグラデーション（ポート35～40）
;
; 背景色の赤を横方向に、緑をたて方向に少しずつ変えて、32 × 16 の色見本を
; かきます。その下に灰色の帯と、文字色を変えた文字を書き、最後に
; 右下のセルの背景色をポート38～40 から読み返して数字で表示し、停止します。
;
;   ポート35 / 36 / 37 : 書くとこれから書く文字の文字色の赤・緑・青（0～255）
;   ポート38 / 39 / 40 : 書くと背景色の赤・緑・青（0～255）
;              ※すでに画面にある文字の色は変わりません
;              読むと「書き込み位置にあるセル」の色が返る（いまの色ではない）
;   ポート33 / 34 : 行 / 桁、ポート17 : 1文字書く、ポート16 : 画面消去
;   文字コード 0 のセルは文字がなく、背景色だけが見えます。

        OUT     #38, #0         ; *黒い背景・白い文字で消去
        OUT     #39, #0
        OUT     #40, #0
        OUT     #35, #255
        OUT     #36, #255
        OUT     #37, #255
        OUT     #16, #0
        OUT     #33, #1
        OUT     #34, #16
        LD      PTR, #TITLE
        CALL    PUTS

; *色見本：行 Y（0～15）は緑 = Y × 16、桁 X（0～31）は赤 = X × 8、青は 128
        OUT     #40, #128
        LD      Y, #0
ROWS:   LD      ROWNO, Y        ; 行 = 4 ＋ Y
        ADD     ROWNO, #4
        OUT     #33, ROWNO
        OUT     #34, #16
        LD      G, Y            ; 緑 = Y × 16（左へ4回シフト）
        SL      G
        SL      G
        SL      G
        SL      G
        OUT     #39, G
        LD      X, #0
COLS:   LD      R, X            ; 赤 = X × 8（左へ3回シフト）
        SL      R
        SL      R
        SL      R
        OUT     #38, R
        OUT     #17, #0         ; 文字のないセル：背景色だけ
        ADD     X, #1
        CMP     X, #32
        JPT     COLS, CF
        ADD     Y, #1
        CMP     Y, #16
        JPT     ROWS, CF

; *灰色の帯：赤・緑・青を同じ値にする
        OUT     #33, #22
        OUT     #34, #16
        LD      X, #0
GRAY:   LD      R, X
        SL      R
        SL      R
        SL      R
        OUT     #38, R
        OUT     #39, R
        OUT     #40, R
        OUT     #17, #0
        ADD     X, #1
        CMP     X, #32
        JPT     GRAY, CF

; *文字色：黒い背景に、色を変えながら「いろいろな色」
        OUT     #38, #0
        OUT     #39, #0
        OUT     #40, #0
        OUT     #33, #25
        OUT     #34, #16
        LD      ^C, #TEXTCOL
        LD      PTR, #RAINBOW
TEXT:   LD      CH, [PTR]
        JPF     READ, CH
        OUT     #35, [^C]       ; 1文字ごとに表から文字色
        ADD     ^C, #1
        OUT     #36, [^C]
        ADD     ^C, #1
        OUT     #37, [^C]
        ADD     ^C, #1
        OUT     #17, CH
        ADD     PTR, #1
        JP      TEXT

; *右下のセル（行19, 桁47）の背景色を読み返す
READ:   OUT     #33, #19
        OUT     #34, #47
        IN      R, #38
        IN      G, #39
        IN      B, #40
        OUT     #35, #255       ; 白い文字で結果を書く
        OUT     #36, #255
        OUT     #37, #255
        OUT     #33, #28
        OUT     #34, #8
        LD      PTR, #READMSG
        CALL    PUTS
        OUT     #33, #29
        OUT     #34, #8
        LD      PTR, #RMSG
        CALL    PUTS
        LD      NUM, R
        CALL    DEC3
        LD      PTR, #GMSG
        CALL    PUTS
        LD      NUM, G
        CALL    DEC3
        LD      PTR, #BMSG
        CALL    PUTS
        LD      NUM, B
        CALL    DEC3
        HALT                    ; *ここで停止

; DEC3: NUM（0～999）を10進3けたで書く（引き算のくり返しで割る）
DEC3:   PROC
        LD      REST, NUM
        LD      D, #100
        CALL    DIGIT
        LD      D, #10
        CALL    DIGIT
        LD      D, #1
        CALL    DIGIT
        RET
DIGIT:  PROC                    ; REST ÷ D の商を1けた書き、REST をあまりにする
        LD      Q, #0$
LOOP:   CMP     REST, D
        JPT     DONE, CF
        SUB     REST, D
        ADD     Q, #1
        JP      LOOP
DONE:   OUT     #17, Q
        RET
Q:      DW      0
        ENDPROC
REST:   DW      0
D:      DW      0
        ENDPROC

; PUTS: PTR が指す文字列を 0 の語まで書く
PUTS:   PROC
LOOP:   LD      CH, [PTR]
        JPF     DONE, CH
        OUT     #17, CH
        ADD     PTR, #1
        JP      LOOP
DONE:   RET
        ENDPROC

; 変数
X:      DW      0
Y:      DW      0
ROWNO:  DW      0
R:      DW      0
G:      DW      0
B:      DW      0
CH:     DW      0
NUM:    DW      0
PTR:    DW      0
^C:     DW      0               ; 文字色の表を指すポインタ

; 文字色の表（赤, 緑, 青）を1文字に1組（RAINBOW の11文字分）
TEXTCOL: DW     255, 64, 64,   255, 160, 0,   255, 240, 0,   128, 255, 0
        DW      0, 224, 128,   0, 208, 255,   64, 128, 255,  176, 96, 255
        DW      255, 96, 224,  255, 192, 192,  255, 255, 255

TITLE:  DW      '色のグラデーション（ポート35～40）', 0
RAINBOW: DW     'いろいろな色の文字です', 0
READMSG: DW     '右下のセルの背景色（ポート38～40で読み返した値）', 0
RMSG:   DW      '赤 ', 0
GMSG:   DW      '　緑 ', 0
BMSG:   DW      '　青 ', 0
