; æ—ßß¡ã
      YYe³ãƒã¯',E
      YY·ude