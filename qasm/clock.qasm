; clock.qasm - タイマーで時計（ポート768）
;
; タイマーを 1000 ミリ秒単位で開始し、始めてからの時間を「分:秒」の
; 大きな数字で表示します。1秒ごとに書きなおします。Esc キーで終了（HALT）。
;
;   ポート768 : 書くとタイマーを開始。値は1カウントのミリ秒（ここでは1000）
;              0 を書くと止まる
;              読むと開始してからのカウント数（65535 の次は 0 にもどる）
;              1000 ミリ秒単位なら、約18時間まで数えられる
;   ポート272 : 書くと選択キー、読むとそのキーが押されていれば 1
;   ポート33 / 34 : 行 / 桁、ポート35～40 : 色、ポート17 : 1文字、ポート16 : 消去
;
; 大きな数字は、5 × 7 の点の形を2進数で書いた表 FONT から作ります。
; 1 のビットが■、0 のビットが空白です。かけ算がないので、
; 数字 d の形の場所 FONT ＋ d × 8 は、d を左へ3回シフトして求めます。

#TOP    EQU     12              ; 大きな数字の一番上の行

; *画面の準備
        OUT     #38, #0         ; 黒い背景で消去
        OUT     #39, #0
        OUT     #40, #32
        OUT     #16, #0
        CALL    WHITE
        OUT     #33, #3
        OUT     #34, #14
        LD      PTR, #TITLE
        CALL    PUTS
        OUT     #33, #34
        OUT     #34, #20
        LD      PTR, #ESCMSG
        CALL    PUTS

        OUT     #272, #1Bh      ; 選択キーを Esc にする
        OUT     #768, #1000     ; *タイマー開始：1カウント = 1000 ミリ秒 = 1秒
        LD      LAST, #0FFFFh   ; はじめの1回はかならず表示する

; *メインループ：Esc を調べ、タイマーの値が変わったら表示しなおす
MAIN:   IN      E, #272
        JPT     QUIT, E
        IN      T, #768
        CMP     T, LAST
        JPT     MAIN, ZF        ; 変わっていなければ待つ
        LD      LAST, T

        LD      SEC, T          ; *分と秒に分ける（60 を引くくり返し）
        LD      MIN, #0
TOMIN:  CMP     SEC, #60
        JPT     MINOK, CF       ; SEC < 60 になったら終わり
        SUB     SEC, #60
        ADD     MIN, #1
        JP      TOMIN
MINOK:  CMP     MIN, #100       ; 分は2けたまで（100分で 00 にもどる）
        JPT     SPLIT, CF
        SUB     MIN, #100
        JP      MINOK

SPLIT:  LD      NUM, MIN        ; *大きな数字で 分:秒
        CALL    TENS            ; TEN = 十の位、ONE = 一の位
        LD      X, #13
        LD      DIGIT, TEN
        CALL    BIGDIG
        LD      X, #19
        LD      DIGIT, ONE
        CALL    BIGDIG
        LD      NUM, SEC
        CALL    TENS
        LD      X, #29
        LD      DIGIT, TEN
        CALL    BIGDIG
        LD      X, #35
        LD      DIGIT, ONE
        CALL    BIGDIG
        CALL    COLON

        CALL    BAR             ; *秒のバー（60 ます）
        CALL    WHITE           ; *タイマーの値をそのまま10進で
        OUT     #33, #30
        OUT     #34, #20
        LD      PTR, #RAWMSG
        CALL    PUTS
        LD      NUM, T
        CALL    DEC5
        JP      MAIN

QUIT:   OUT     #768, #0        ; *Esc：タイマーを止めて終了
        CALL    WHITE
        OUT     #33, #34
        OUT     #34, #20
        LD      PTR, #BYE
        CALL    PUTS
        HALT

; TENS: NUM（0～99）を十の位 TEN と一の位 ONE に分ける
TENS:   PROC
        LD      TEN, #0
        LD      ONE, NUM
LOOP:   CMP     ONE, #10
        JPT     DONE, CF
        SUB     ONE, #10
        ADD     TEN, #1
        JP      LOOP
DONE:   RET
        ENDPROC

; BIGDIG: 数字 DIGIT を、行 #TOP・桁 X から 5 × 7 の大きさで書く
BIGDIG: PROC
        LD      ^P, DIGIT       ; ^P = FONT + DIGIT × 8
        SL      ^P
        SL      ^P
        SL      ^P
        ADD     ^P, #FONT
        LD      ROW, #TOP
        OUT     #35, #96        ; 水色
        OUT     #36, #224
        OUT     #37, #255
LINE:   OUT     #33, ROW        ; 1行分（5点）
        OUT     #34, X
        LD      BITS, [^P]
        LD      MASK, #10000b   ; 左の点から
DOT:    LD      CH, #0          ; 0 のビットは空白（背景だけ）
        BIT     BITS, MASK
        JPT     PUT, ZF
        LD      CH, #■$
PUT:    OUT     #17, CH
        SR      MASK
        JPT     DOT, MASK       ; 5点書くと MASK が 0 になる
        ADD     ^P, #1
        ADD     ROW, #1
        CMP     ROW, #TOP+7
        JPT     LINE, CF
        RET
^P:     DW      0               ; FONT の中を指すポインタ
BITS:   DW      0
MASK:   DW      0
ROW:    DW      0
CH:     DW      0
        ENDPROC

; COLON: 分と秒のあいだの「:」（桁26 の2つの点）
COLON:  PROC
        OUT     #34, #26
        OUT     #33, #TOP+2
        OUT     #17, #■$
        OUT     #34, #26
        OUT     #33, #TOP+4
        OUT     #17, #■$
        RET
        ENDPROC

; BAR: 行24 に 60 ますのバー。いまの秒数 SEC までが■、のこりが・
BAR:    PROC
        OUT     #33, #24
        OUT     #34, #2
        OUT     #35, #255       ; 黄色
        OUT     #36, #224
        OUT     #37, #0
        LD      I, #0
LOOP:   LD      CH, #・$
        CMP     I, SEC          ; I < SEC なら■
        JPF     PUT, CF
        LD      CH, #■$
PUT:    OUT     #17, CH
        ADD     I, #1
        CMP     I, #60
        JPT     LOOP, CF
        RET
I:      DW      0
CH:     DW      0
        ENDPROC

; DEC5: NUM（0～65535）を10進5けたで書く（引き算のくり返しで割る）
DEC5:   PROC
        LD      R, NUM
        LD      D, #10000
        CALL    DIGIT
        LD      D, #1000
        CALL    DIGIT
        LD      D, #100
        CALL    DIGIT
        LD      D, #10
        CALL    DIGIT
        LD      D, #1
        CALL    DIGIT
        RET
; DIGIT: R を D で割った商を1けた書き、R をあまりにする
DIGIT:  PROC
        LD      Q, #0$
LOOP:   CMP     R, D
        JPT     DONE, CF
        SUB     R, D
        ADD     Q, #1
        JP      LOOP
DONE:   OUT     #17, Q
        RET
Q:      DW      0
        ENDPROC
R:      DW      0
D:      DW      0
        ENDPROC

; WHITE: 白い文字
WHITE:  PROC
        OUT     #35, #255
        OUT     #36, #255
        OUT     #37, #255
        RET
        ENDPROC

; PUTS: PTR が指す文字列を 0 の語まで書く
PUTS:   PROC
LOOP:   LD      CH, [PTR]
        JPF     DONE, CH
        OUT     #17, CH
        ADD     PTR, #1
        JP      LOOP
DONE:   RET
CH:     DW      0
        ENDPROC

; 変数
T:      DW      0               ; タイマーの値（秒）
LAST:   DW      0               ; 前に表示したときの値
SEC:    DW      0               ; 秒（0～59）
MIN:    DW      0               ; 分（0～99）
NUM:    DW      0
TEN:    DW      0
ONE:    DW      0
X:      DW      0               ; 大きな数字の左はしの桁
DIGIT:  DW      0               ; 大きく書く数字
E:      DW      0
PTR:    DW      0

; 数字 0～9 の形：1つの数字に 8 語（7行 ＋ 使わない 1語）
FONT:   DW      01110b, 10001b, 10011b, 10101b, 11001b, 10001b, 01110b, 0
        DW      00100b, 01100b, 00100b, 00100b, 00100b, 00100b, 01110b, 0
        DW      01110b, 10001b, 00001b, 00010b, 00100b, 01000b, 11111b, 0
        DW      11111b, 00010b, 00100b, 00010b, 00001b, 10001b, 01110b, 0
        DW      00010b, 00110b, 01010b, 10010b, 11111b, 00010b, 00010b, 0
        DW      11111b, 10000b, 11110b, 00001b, 00001b, 10001b, 01110b, 0
        DW      00110b, 01000b, 10000b, 11110b, 10001b, 10001b, 01110b, 0
        DW      11111b, 00001b, 00010b, 00100b, 01000b, 01000b, 01000b, 0
        DW      01110b, 10001b, 10001b, 01110b, 10001b, 10001b, 01110b, 0
        DW      01110b, 10001b, 10001b, 01111b, 00001b, 00010b, 01100b, 0

TITLE:  DW      'タイマーの時計（ポート768）　分：秒', 0
ESCMSG: DW      'Escキーで終了します', 0
RAWMSG: DW      'タイマーの値（ポート768）：', 0
BYE:    DW      'Escキーで終了しました', 0
