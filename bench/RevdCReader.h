#ifndef REVD_C_READER_H
#define REVD_C_READER_H
/* The least a reader of saved forms must do, in plain C: walk a folder tree,
   and for every "*.qfs" file read its 64-byte header and, for a form, the
   bytes of its filled-values section. The scan benchmark measures itself
   against this. */

#ifdef __cplusplus
extern "C" {
#endif

struct RevdCReaderTotals {
    long long files;   /* "*.qfs" files opened */
    long long forms;   /* of them, forms with a filled-values section */
    long long bytes;   /* header and section bytes read */
};

void RevdCReadTree(const char* root, struct RevdCReaderTotals* totals);

#ifdef __cplusplus
}
#endif

#endif
