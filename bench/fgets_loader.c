/* The yardstick for reading KEY files: a plain C loader with fgets and sscanf, as a game of its
 * time reads them. It parses the numbers Skyvane's reader parses (frame, flags, the six values
 * and the six changes of every entry) into 32-bit floats and checks nothing beyond the line
 * shapes. Only for measuring `skyvane-key check` against it; the editor never uses it.
 *
 * Usage: fgets_loader FILE. Prints "FILE: N nodes" and exits 0, or exits 1 when the file
 * cannot be opened or a line does not have the expected shape. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct entry {
    float frame;
    unsigned flags;
    float values[6];
    float changes[6];
};

struct node {
    char mesh[32];
    int count;
    struct entry* entries;
};

/* The next line that is neither blank nor a comment; 0 at the end of the file. */
static int next_line(FILE* file, char* line, int size) {
    while (fgets(line, size, file)) {
        const char* first = line + strspn(line, " \t\r\n");
        if (*first != '\0' && *first != '#')
            return 1;
    }
    return 0;
}

static int load_entries(FILE* file, char* line, int size, struct node* node) {
    node->entries = calloc((size_t)node->count, sizeof *node->entries);
    if (!node->entries)
        return 0;
    for (int i = 0; i < node->count; ++i) {
        struct entry* e = &node->entries[i];
        float* v = e->values;
        float* d = e->changes;
        int index = 0;
        if (!next_line(file, line, size) ||
            sscanf(line, "%d: %f %x %f %f %f %f %f %f", &index, &e->frame, &e->flags, &v[0], &v[1],
                   &v[2], &v[3], &v[4], &v[5]) != 9)
            return 0;
        if (!next_line(file, line, size) ||
            sscanf(line, "%f %f %f %f %f %f", &d[0], &d[1], &d[2], &d[3], &d[4], &d[5]) != 6)
            return 0;
    }
    return 1;
}

/* The node's NODE, MESH NAME and ENTRIES lines, then its entries. */
static int load_node(FILE* file, char* line, int size, struct node* node) {
    int number = -1;
    node->count = -1;
    while (node->count < 0) {
        if (!next_line(file, line, size))
            return 0;
        sscanf(line, "NODE %d", &number);
        sscanf(line, "MESH NAME %31s", node->mesh);
        sscanf(line, "ENTRIES %d", &node->count);
    }
    return load_entries(file, line, size, node);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fputs("Usage: fgets_loader FILE\n", stderr);
        return 2;
    }
    FILE* file = fopen(argv[1], "r");
    if (!file)
        return 1;
    char line[512];
    const int size = sizeof line;
    float fps = 0;
    int joints = -1;
    while (joints < 0 && next_line(file, line, size)) {
        sscanf(line, "FPS %f", &fps);
        sscanf(line, "JOINTS %d", &joints);
    }
    int ok = joints >= 0;
    struct node* nodes = calloc(joints > 0 ? (size_t)joints : 1, sizeof *nodes);
    int loaded = 0;
    while (ok && nodes && loaded < joints && (ok = load_node(file, line, size, &nodes[loaded])))
        ++loaded;
    fclose(file);
    for (int k = 0; nodes && k < joints; ++k)
        free(nodes[k].entries);
    free(nodes);
    if (!ok)
        return 1;
    printf("%s: %d nodes at %g frames per second\n", argv[1], loaded, fps);
    return 0;
}
