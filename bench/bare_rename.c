/* The baseline of the rename benchmark: a bare loop that upper-cases every name of a
 * directory with rename(2), nothing else. */
#include <ctype.h>
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: bare_rename DIR\n");
        return 2;
    }
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
    closedir(dir);
    char from[4096], to[4096];
    for (size_t i = 0; i < count; ++i) {
        snprintf(from, sizeof from, "%s/%s", argv[1], names[i]);
        for (char* p = names[i]; *p; ++p)
            *p = (char)toupper((unsigned char)*p);
        snprintf(to, sizeof to, "%s/%s", argv[1], names[i]);
        if (rename(from, to) != 0)
            perror(from);
        free(names[i]);
    }
    free(names);
    return 0;
}
