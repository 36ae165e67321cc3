/* The floor of the rename benchmarks: a bare loop that reads a directory, then renames every
 * entry with renameat2(RENAME_NOREPLACE), the call quorvane itself uses, and nothing else.
 * MODE "upper" (the default) upper-cases each name; "underscores" turns every "_" into a
 * space. */
#define _GNU_SOURCE
#include <ctype.h>
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        fprintf(stderr, "usage: bare_rename DIR [upper|underscores]\n");
        return 2;
    }
    const int underscores = argc == 3 && strcmp(argv[2], "underscores") == 0;
    DIR* dir = opendir(argv[1]);
    if (!dir)
        return 1;
    size_t count = 0, capacity = 1024;
    char** names = malloc(capacity * sizeof *names);
    struct dirent* e;
    while ((e = readdir(dir)) != NULL) {
        if (e->d_name[0] == '.')
            continue;
        if (count == capacity)
            names = realloc(names, (capacity *= 2) * sizeof *names);
        names[count++] = strdup(e->d_name);
    }
    const int fd = dirfd(dir);
    char to[4096];
    int status = 0;
    for (size_t i = 0; i < count; ++i) {
        size_t n = 0;
        for (const char* p = names[i]; *p && n + 1 < sizeof to; ++p, ++n)
            to[n] = underscores ? (*p == '_' ? ' ' : *p) : (char)toupper((unsigned char)*p);
        to[n] = '\0';
        if (strcmp(to, names[i]) != 0 && renameat2(fd, names[i], fd, to, RENAME_NOREPLACE) != 0) {
            perror(names[i]);
            status = 1;
        }
        free(names[i]);
    }
    free(names);
    closedir(dir);
    return status;
}
