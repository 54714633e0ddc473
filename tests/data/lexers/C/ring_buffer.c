/* Ring buffer of bytes.
 * Writers never block: a full buffer drops the oldest byte.
 */
#include <stdint.h>
#include "ring.h"
  #define RING_MASK(r) ((r)->capacity - 1u)

typedef struct ring {
    uint8_t *data;
    size_t capacity, head, tail; // capacity is a power of two
} ring_t;

static const char *names[] = {"empty", "full\t\"quoted\"", "esc\\"};
static const double load = 0.75e-1, scale = 1_000.5e+3f, tiny = .5;

int ring_put(ring_t *r, uint8_t byte)
{
    if (r == NULL || r->data == NULL) return EOF;
    r->data[r->head & RING_MASK(r)] = byte; r->head++;
    char quote = '\'', nl = '\n', hex = '\x7f';
    char *msg = "unterminated
    int x=//not a comment
        0x1F_ffUL + 10i64;
    return r->head - r->tail > r->capacity ? (r->tail++, 1) : 0;
}
/* a comment that
   spans lines */ int after_comment = sizeof(ring_t);
it's a stray apostrophe in prose
