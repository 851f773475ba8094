// SPDX-License-Identifier: MIT
#pragma once

// The worked examples of the code, one for each kind of answer and one with every section: codes a
// person can make with the encoder, which every front end must give back exactly.
inline const char* const kWorkedExamples[] = {
    "GlomieCode(1.12.05) SM:5",
    "GlomieCode(1.12.05) SM:5-[7+]m+",
    "GlomieCode(1.12.05) SM:![0]m-",
    "GlomieCode(1.12.05) SM:5 F:sMo++ D:vBe- X:**",
    "GlomieCode(1.12.05) SM:5 F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>---",
    "GlomieCode(1.12.05) SM:5 F:v4GA3:p*R1",
    "GlomieCode(1.12.05) SM:5 X:***[*]:aClr++|ClS[SS]s++++:m18s++[+]",
    "GlomieCode(1.12.05) SM:5 X:a[R]d+",
    "GlomieCode(1.12.05) SM:5 O:d--:!s++:?o:a?:h-[-]:x+",
    "GlomieCode(1.12.05) SM:5 O:!sZ",
    "GlomieCode(1.12.05) SM:5 P:w?",
    "GlomieCode(1.12.05) SM:5 P:eBBrL|Gg[z]",
    "GlomieCode(1.12.05) SM:5 P:a23:eBg:hBr+:x:r+|+",
    "GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++Me+[++]:aLu++:pS<+[+] D:vBe>--- X:***[*]:aClr++|ClS[SS]s++++:"
    "m18s++[+] O:d--:!s++:?o:a?:h-[-]:x+ P:a23:eBg:hBr+:x75%:r+|+",
};
