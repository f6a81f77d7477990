// Keeps the resource library a real archive; the pictures are registered by artwork.cpp.
namespace stk::client {
int client_resources_anchor = 0;
}
