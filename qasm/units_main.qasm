; units_main.qasm - ユニットと INCLUDE で分けたプログラム（九九の表）
;
; 九九の表を画面に書いて停止します。かけ算はユニット MATH の MUL、
; 画面への表示はユニット SCREEN のプロシージャが受け持ちます。
;
;   INCLUDE ファイル名 : その行にファイルの中身を読みこむ
;                        （このファイルと同じフォルダから）
;       units_main.qasm ─ INCLUDE → lib_screen.qasm（ユニット SCREEN）
;                                 ─ INCLUDE → lib_math.qasm（ユニット MATH）
;   名前: UNIT ～ ENDUNIT : ユニット。中のラベルは、USES でそのユニットを
;                           名指しした場所からだけ、名前だけで見える
;   USES ユニット名, ... : ここからそのユニットのラベルを使う
;   名前: PROC ～ ENDPROC : プロシージャ。中のラベルはその中だけのもの。
;                           外からは「ラベル名.プロシージャ名」で届く
;                           （例：VALUE.PUTNUM、^TEXT.PUTS）
;
; ラベルの種類（ラベルビューの「ラベル表示の設定」で選んで表示できます）:
;   #名前 EQU 値 : 即値型の定数。使うときも #名前 と書く
;   >名前        : 行ラベル型（ジャンプ先）
;   ^名前        : ポインタ型（アドレスを入れておく変数）
;   ふつうの名前 : 変数型
;
; ワークベンチでは、ユニットの中の行ははじめリストに表示されません。
; 「表示(V)」→「表示するユニットの設定(U)...」で表示できます。
;
; 使うポートはライブラリの中だけ：16, 17, 33, 34, 35～40

        PROGRAM MAIN            ; プログラムの入口の名前（何も作らない）
        USES    SCREEN, MATH    ; 2つのユニットのラベルを使う

#TOP    EQU     8               ; 表の見出しの行
#LEFT   EQU     12              ; 表の左はしの桁

MAIN:   CALL    CLS             ; *見出し
        LD      PEN, #1         ; 黄色
        CALL    SETPEN
        LD      ROW, #4
        LD      COL, #12
        CALL    LOCATE
        LD      ^TEXT.PUTS, #TITLE      ; プロシージャの中のラベルを外から
        CALL    PUTS

; *1行目：かける数 1～9 を水色で
        LD      PEN, #2
        CALL    SETPEN
        LD      ROW, #TOP
        LD      COL, #LEFT
        CALL    LOCATE
        LD      ^TEXT.PUTS, #CROSS      ; 左上のすみに ×
        CALL    PUTS
        LD      J, #1
>HEAD:  LD      VALUE.PUTNUM, J
        CALL    PUTNUM
        OUT     #17, #32        ; 数と数のあいだの空白
        ADD     J, #1
        CMP     J, #10          ; J < 10 のあいだ
        JPT     >HEAD, CF

; *2行目から：I の段（I × 1 ～ I × 9）
        LD      I, #1
>ROWS:  LD      ROW, I          ; 行 = #TOP + I
        ADD     ROW, #TOP
        LD      COL, #LEFT
        CALL    LOCATE
        LD      PEN, #2         ; 段の数（水色）
        CALL    SETPEN
        LD      VALUE.PUTNUM, I
        CALL    PUTNUM
        OUT     #17, #32
        LD      J, #1
>COLS:  LD      NUM1, I         ; ANS = I × J（ユニット MATH の MUL）
        LD      NUM2, J
        CALL    MUL
        LD      PEN, #0         ; ふつうは白
        CMP     I, J
        JPF     >PUT, ZF
        LD      PEN, #3         ; I = J（同じ数のかけ算）は桃色
>PUT:   CALL    SETPEN
        LD      VALUE.PUTNUM, ANS
        CALL    PUTNUM
        OUT     #17, #32
        ADD     J, #1
        CMP     J, #10
        JPT     >COLS, CF
        ADD     I, #1
        CMP     I, #10
        JPT     >ROWS, CF

; *表の下に説明
        LD      PEN, #6         ; 灰色
        CALL    SETPEN
        LD      ROW, #TOP+11
        LD      COL, #LEFT
        CALL    LOCATE
        LD      ^TEXT.PUTS, #NOTE
        CALL    PUTS
        HALT                    ; *ここで停止

; 変数と文字列（このファイルのラベルはどこからでも見える）
I:      DW      0               ; かけられる数（段）
J:      DW      0               ; かける数
TITLE:  DW      '九九の表（ユニット MATH と SCREEN）', 0
CROSS:  DW      '　×', 0
NOTE:   DW      'かけ算は MUL、表示は PUTNUM で', 0

; *ライブラリ：ここに lib_screen.qasm（と、その中の lib_math.qasm）が入る
        INCLUDE lib_screen.qasm
