/* Built against an installed runtime (pkg-config or find_package): opens a
 * document and prints how many items each group holds, one "group count"
 * line per group. */
#include <quillop/runtime/quillop_runtime.h>

#include <stdio.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: groups FILE.mrc\n");
        return 2;
    }
    QuillopDocument* document = NULL;
    QuillopError error = quillop_open_file(argv[1], NULL, &document);
    if (error != QUILLOP_OK) {
        fprintf(stderr, "groups: %s: %s\n", argv[1], quillop_error_text(error));
        return 1;
    }
    for (int group = 0; group < QUILLOP_GROUP_COUNT; ++group)
        printf("%d %d\n", group, quillop_count(document, group));
    quillop_close(document);
    return 0;
}
