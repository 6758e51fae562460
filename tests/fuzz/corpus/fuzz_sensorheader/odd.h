#define
#define A
#define B		0xFFFFFFFFFF
#define  C   7  // trailing
