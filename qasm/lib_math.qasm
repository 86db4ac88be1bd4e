; lib_math.qasm - かけ算とわり算のライブラリ（ユニット MATH）
;
; QRXマシンにはかけ算とわり算の命令がないので、シフトと足し算・引き算で
; 作ります。lib_screen.qasm の最後で INCLUDE され、units_main.qasm から
; 使われます。このファイルだけでは動くプログラムになりません。
;
; 使い方（USES MATH と書いた場所から、下の名前がそのまま見えます）:
;   NUM1, NUM2 に値を入れて CALL MUL    → ANS = NUM1 × NUM2（下位16ビット）
;   NUM1, NUM2 に値を入れて CALL DIVMOD → ANS = NUM1 ÷ NUM2、REM = あまり
;                                          （NUM2 が 0 なら ANS = 65535）
; どちらも NUM1, NUM2 の値をこわします。
;
; ユニットの中のラベルは「名前.MATH.*」という鍵で登録されます。
; プロシージャの中のラベル（LOOP など）はさらに内側のスコープにあり、
; ほかのプロシージャの LOOP とはぶつかりません。

MATH:   UNIT

; *MUL: ANS = NUM1 × NUM2（シフトと足し算）
;   NUM2 の最下位ビットが1なら NUM1 を足し、NUM1 を2倍、NUM2 を半分にする
MUL:    PROC
        LD      ANS, #0
LOOP:   JPF     DONE, NUM2      ; NUM2 が 0 になったら終わり
        BIT     NUM2, #1        ; 最下位ビットを調べる
        JPT     SHIFT, ZF       ; 0 なら足さない
        ADD     ANS, NUM1
SHIFT:  SL      NUM1            ; NUM1 を2倍
        SR      NUM2            ; NUM2 を半分
        JP      LOOP
DONE:   RET
        ENDPROC

; *DIVMOD: ANS = NUM1 ÷ NUM2、REM = あまり（ひっ算と同じやり方で16ビット）
;   NUM1 を上のビットから1つずつ REM に移し、REM が NUM2 以上なら引いて
;   商のそのビットを1にする
DIVMOD: PROC
        LD      ANS, #0
        LD      REM, #0
        LD      BITS, #16
LOOP:   SL      NUM1            ; NUM1 の最上位ビットが CF に出る
        LD      CARRY, CF       ; CF はメモリの語なので、ふつうに読める
        SL      REM             ; REM = REM × 2 + そのビット
        ADD     REM, CARRY
        SL      ANS             ; 商も1ビットずらす
        CMP     REM, NUM2       ; REM < NUM2 なら CF = 1
        JPT     NEXT, CF
        SUB     REM, NUM2
        ADD     ANS, #1
NEXT:   SUB     BITS, #1
        JPF     LOOP, ZF        ; 16ビット分くり返す
        RET
BITS:   DW      0               ; 残りのビット数
CARRY:  DW      0               ; NUM1 から出たビット
        ENDPROC

; ユニットの変数（USES MATH で見える）
NUM1:   DW      0
NUM2:   DW      0
ANS:    DW      0
REM:    DW      0

        ENDUNIT
