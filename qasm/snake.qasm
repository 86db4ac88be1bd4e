; snake.qasm - ヘビのゲーム
;
; 矢印キーでヘビを動かし、★を食べるとヘビがのびて、少し速くなります。
; かべ（■）か自分の体にぶつかるとゲームオーバーで停止（HALT）します。
; はじめの画面でスペースキーを押すとスタート、Esc キーでいつでも終了します。
; もう一度遊ぶときは、リセットしてから実行します。
;
;   ポート258 : キー行2（キーコード 20h～2Fh）。ビット0 スペース（20h）、
;              ビット5 ←（25h）、ビット6 ↑（26h）、ビット7 →（27h）、ビット8 ↓（28h）
;   ポート257 : キー行1（10h～1Fh）。ビット11 が Esc（1Bh）
;   ポート768 : タイマー。10 ミリ秒単位で開始し、SPEED カウントごとに1歩進む
;   ポート32  : 書き込み位置（行 × 64 ＋ 桁）
;   ポート17  : 書くと1文字。読むと書き込み位置の文字コード。
;              ヘビの行き先のセルを読んで、かべ・体・★を見分ける
;   ポート33 / 34 : 行 / 桁、ポート35～40 : 色、ポート16 : 画面消去
;
; ヘビの体のセル位置は、リングバッファ RING（4096 語）に順に入れます。
; HEAD が頭、TAIL がしっぽの番号で、番号は 4095 との AND でくり返し使います。
; ★の位置は、プログラムで作る疑似乱数（16ビットの LFSR）で決めます。

#WALLCH EQU     ■$              ; かべの文字（文字定数も EQU にできる）
#BODYCH EQU     ●$              ; 体の文字
#HEADCH EQU     ◎$              ; 頭の文字
#FOODCH EQU     ★$              ; えさの文字
#START  EQU     1546            ; はじめの頭の位置：行24・桁10（24 × 64 ＋ 10）

; *はじめの画面：スペースキーを待つあいだ、数を数えて乱数の種にする
        CALL    BLACK
        OUT     #16, #0
        CALL    WHITE
        OUT     #33, #14
        OUT     #34, #24
        LD      PTR, #TITLE
        CALL    PUTS
        OUT     #33, #18
        OUT     #34, #10
        LD      PTR, #HOW1
        CALL    PUTS
        OUT     #33, #20
        OUT     #34, #10
        LD      PTR, #HOW2
        CALL    PUTS
        OUT     #33, #24
        OUT     #34, #16
        LD      PTR, #HOW3
        CALL    PUTS
WAITSP: ADD     SEED, #1        ; 押すまでの時間で種が変わる
        IN      K, #257         ; Esc なら終了
        BIT     K, #0800h
        JPF     ESCAPE, ZF
        IN      K, #258         ; スペース（ビット0）を待つ
        BIT     K, #1
        JPT     WAITSP, ZF

; *ゲームの準備：かべ、スコア、ヘビ、えさ
        CALL    BLACK
        OUT     #16, #0
        CALL    WALLS
        CALL    SHOWSC
        LD      RND, SEED       ; 乱数の種（0 だと LFSR が止まるので 1 のビットを立てる）
        OR      RND, #1
        LD      POS, #START     ; 頭の位置
        LD      HEAD, #0
        LD      TAIL, #0
        LD      RING, POS       ; RING の 0 番に頭の位置
        LD      DIR, #1         ; 右向き（1歩で位置が +1）
        LD      NEXT, #1
        LD      GROW, #4        ; あと4歩はしっぽを消さない（のびる）
        OUT     #32, POS
        CALL    HEADCOL
        OUT     #17, #HEADCH
        CALL    FOOD
        OUT     #768, #10       ; タイマー開始：1カウント = 10 ミリ秒
        IN      LAST, #768

; *メインループ：キーを見ながら、SPEED カウントたつのを待つ
WAIT:   IN      K, #258         ; 矢印キー → NEXT（1歩で位置がいくつ変わるか）
        BIT     K, #20h         ; ←
        JPT     UP, ZF
        LD      NEXT, #-1
UP:     BIT     K, #40h         ; ↑
        JPT     RIGHT, ZF
        LD      NEXT, #-64
RIGHT:  BIT     K, #80h         ; →
        JPT     DOWN, ZF
        LD      NEXT, #1
DOWN:   BIT     K, #100h        ; ↓
        JPT     ESC, ZF
        LD      NEXT, #64
ESC:    IN      K, #257         ; Esc
        BIT     K, #0800h
        JPF     ESCAPE, ZF
        IN      T, #768         ; 前の1歩から SPEED カウントたったか
        LD      D, T
        SUB     D, LAST         ; 65535 から 0 にもどっても、引き算なら正しい
        CMP     D, SPEED
        JPT     WAIT, CF        ; D < SPEED ならまだ
        LD      LAST, T

; *1歩進む
        LD      S, NEXT         ; 反対向き（NEXT ＋ DIR = 0）には曲がれない
        ADD     S, DIR
        JPF     STRAIGHT, S
        LD      DIR, NEXT
STRAIGHT: LD    NEWPOS, POS     ; 新しい頭の位置
        ADD     NEWPOS, DIR
        OUT     #32, POS        ; いまの頭を体にする
        CALL    BODYCOL
        OUT     #17, #BODYCH
        JPF     CUT, GROW       ; のびている途中なら、しっぽはそのまま
        SUB     GROW, #1
        JP      LOOK
CUT:    LD      ^P, TAIL        ; しっぽのセルを消して TAIL を進める
        AND     ^P, #4095
        ADD     ^P, #RING
        OUT     #32, [^P]
        CALL    BLACK
        OUT     #17, #0
        ADD     TAIL, #1
LOOK:   OUT     #32, NEWPOS     ; 行き先のセルに何があるか読む
        IN      C, #17
        LD      ATE, #0
        JPF     MOVE, C         ; 0 なら空き
        CMP     C, #FOODCH
        JPF     GAMEOVR, ZF     ; ★でなければ、かべか体にぶつかった
        LD      ATE, #1         ; ★を食べた
        ADD     SCORE, #1
        ADD     GROW, #3
        CMP     SPEED, #6       ; 少し速くする（5 カウントまで）
        JPT     MOVE, CF
        SUB     SPEED, #1
MOVE:   OUT     #32, NEWPOS     ; 新しい頭をかく
        CALL    HEADCOL
        OUT     #17, #HEADCH
        LD      POS, NEWPOS
        ADD     HEAD, #1        ; RING に頭の位置を入れる
        LD      ^P, HEAD
        AND     ^P, #4095
        ADD     ^P, #RING
        LD      [^P], POS
        JPF     WAIT, ATE
        CALL    SHOWSC          ; 食べたときは、スコアと新しい★
        CALL    FOOD
        JP      WAIT

GAMEOVR: OUT    #768, #0        ; *ゲームオーバー
        CALL    WHITE
        OUT     #33, #22
        OUT     #34, #20
        LD      PTR, #OVER
        CALL    PUTS
        LD      NUM, SCORE
        CALL    DEC4
        OUT     #33, #24
        OUT     #34, #14
        LD      PTR, #AGAIN
        CALL    PUTS
        HALT

ESCAPE: OUT     #768, #0        ; *Esc で終了
        CALL    WHITE
        OUT     #33, #0
        OUT     #34, #40
        LD      PTR, #BYE
        CALL    PUTS
        HALT

; WALLS: 行1 と行47 の全部、桁0 と桁63 の行2～46 に■をかく
WALLS:  PROC
        OUT     #35, #128       ; 灰色
        OUT     #36, #128
        OUT     #37, #128
        OUT     #32, #64        ; 行1 の先頭から 64 文字
        CALL    ROW64
        OUT     #32, #3008      ; 行47（47 × 64）
        CALL    ROW64
        LD      R, #2
SIDE:   OUT     #33, R          ; 左右のかべ
        OUT     #34, #0
        OUT     #17, #WALLCH
        OUT     #34, #63
        OUT     #17, #WALLCH
        ADD     R, #1
        CMP     R, #47
        JPT     SIDE, CF
        RET
ROW64:  PROC                    ; 書き込み位置から■を 64 個
        LD      N, #64
LOOP:   OUT     #17, #WALLCH
        SUB     N, #1
        JPF     LOOP, ZF
        RET
N:      DW      0
        ENDPROC
R:      DW      0
        ENDPROC

; FOOD: 空いているセルに★を置く（乱数で桁と行を決め、空きでなければやりなおし）
FOOD:   PROC
TRY:    CALL    RAND            ; 桁 = 乱数の下6ビット（0～63）
        LD      COL, RND
        AND     COL, #63
        JPF     TRY, COL        ; 桁0 はかべ
        CMP     COL, #63
        JPT     TRY, ZF         ; 桁63 もかべ
        CALL    RAND            ; 行 = 乱数の下6ビット（0～63）
        LD      ROW, RND
        AND     ROW, #63
        CMP     ROW, #2
        JPT     TRY, CF         ; 行0～1 はだめ
        CMP     ROW, #47
        JPF     TRY, CF         ; 行47 より下もだめ
        LD      CELL, ROW       ; 位置 = 行 × 64 ＋ 桁（64 倍は左へ6回シフト）
        SL      CELL
        SL      CELL
        SL      CELL
        SL      CELL
        SL      CELL
        SL      CELL
        ADD     CELL, COL
        OUT     #32, CELL       ; 空きか調べる
        IN      C, #17
        JPT     TRY, C
        OUT     #35, #255       ; 赤い★
        OUT     #36, #64
        OUT     #37, #64
        OUT     #17, #FOODCH
        RET
COL:    DW      0
ROW:    DW      0
CELL:   DW      0
C:      DW      0
        ENDPROC

; RAND: 16ビットの LFSR を8回進めて、RND を次の疑似乱数にする
;   右へ1回シフトし、出たビット（CF）が1なら 0B400h と XOR をとる
;   （0B400h の h を忘れると、最後の文字で2進数と読まれてしまうので注意）
RAND:   PROC
        LD      N, #8
LOOP:   SR      RND
        JPF     NOXOR, CF
        XOR     RND, #0B400h
NOXOR:  SUB     N, #1
        JPF     LOOP, ZF
        RET
N:      DW      0
        ENDPROC

; SHOWSC: 行0 にスコアを書く
SHOWSC: PROC
        CALL    WHITE
        OUT     #33, #0
        OUT     #34, #1
        LD      PTR, #SCMSG
        CALL    PUTS
        LD      NUM, SCORE
        CALL    DEC4
        RET
        ENDPROC

; DEC4: NUM（0～9999）を10進4けたで書く（引き算のくり返しで割る）
DEC4:   PROC
        LD      R, NUM
        LD      D, #1000
        CALL    DIGIT
        LD      D, #100
        CALL    DIGIT
        LD      D, #10
        CALL    DIGIT
        LD      D, #1
        CALL    DIGIT
        RET
DIGIT:  PROC                    ; R ÷ D の商を1けた書き、R をあまりにする
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

; 色のサブルーチン
BLACK:  PROC                    ; 背景を黒に
        OUT     #38, #0
        OUT     #39, #0
        OUT     #40, #0
        RET
        ENDPROC
WHITE:  PROC                    ; 白い文字、黒い背景
        OUT     #35, #255
        OUT     #36, #255
        OUT     #37, #255
        CALL    BLACK
        RET
        ENDPROC
BODYCOL: PROC                   ; 体は緑
        OUT     #35, #0
        OUT     #36, #208
        OUT     #37, #0
        CALL    BLACK
        RET
        ENDPROC
HEADCOL: PROC                   ; 頭は黄色
        OUT     #35, #255
        OUT     #36, #232
        OUT     #37, #0
        CALL    BLACK
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
SEED:   DW      0               ; 乱数の種
RND:    DW      0               ; 疑似乱数
POS:    DW      0               ; 頭の位置
NEWPOS: DW      0               ; 次の頭の位置
DIR:    DW      0               ; 進む向き（1歩の位置の変化：1, -1, 64, -64）
NEXT:   DW      0               ; キーで選んだ向き
S:      DW      0
HEAD:   DW      0               ; RING の頭の番号
TAIL:   DW      0               ; RING のしっぽの番号
GROW:   DW      0               ; あと何歩のびるか
^P:     DW      0               ; RING の中を指すポインタ
C:      DW      0               ; 行き先のセルの文字
ATE:    DW      0               ; この歩で★を食べたら 1
SCORE:  DW      0               ; 食べた★の数
SPEED:  DW      12              ; 1歩のカウント数（10 ミリ秒単位）
T:      DW      0
LAST:   DW      0
D:      DW      0
K:      DW      0               ; キー行
NUM:    DW      0
PTR:    DW      0

TITLE:  DW      'ヘビのゲーム', 0
HOW1:   DW      '矢印キーで動かし、★を食べるとのびます', 0
HOW2:   DW      'かべや自分の体にぶつかるとゲームオーバー', 0
HOW3:   DW      'スペースキーでスタート　Escキーで終了', 0
SCMSG:  DW      'スコア ', 0
OVER:   DW      'ゲームオーバー　スコア ', 0
AGAIN:  DW      'リセットしてから実行すると、もう一度遊べます', 0
BYE:    DW      'Escキーで終了しました', 0

; *リングバッファ：プログラムから離して 1000h 番地から 4096 語を使う
;   「数字で始まるラベル」は名前ではなく、ここから先のアドレスを決める
1000h:
RING:   DW      0
