// stb's image reader and writer are single headers that carry their code
// with them: this is the one place it is compiled. The tools need PNG only,
// from and to memory (files go through file_writer, which checks the flush).

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
